# Writes the help file: the resource bundle followed by a line with its
# SHA-256, which the game checks before it shows a page, so that a file whose
# bytes were changed is reported as damaged instead of shown garbled.
#   cmake -DBUNDLE=bundle.rcc -DTARGET=tmbw.rcc -P SealHelpFile.cmake
cmake_minimum_required(VERSION 3.25)

file(SHA256 ${BUNDLE} checksum)
# Written beside the target and renamed over it, so that a build that stops
# half-way never leaves a help file without its checksum line.
file(COPY_FILE ${BUNDLE} ${TARGET}.part)
file(APPEND ${TARGET}.part "\ntumblewick-help-sha256:${checksum}\n")
file(RENAME ${TARGET}.part ${TARGET})
