# Copies a help page into the bundle, leaving out the picture blocks whose
# pictures are not built. A block runs from <!--pic:KIND--> to <!--/pic-->,
# KIND being "tiles" or "toolbar"; the markers themselves are always dropped.
#   cmake -DSOURCE=page.html -DTARGET=out.html -DTILES=ON|OFF -DTOOLBAR=ON|OFF -P PreparePage.cmake
cmake_minimum_required(VERSION 3.25)

# Sets `out` to `text` with every block of `kind` kept (without its markers)
# or dropped whole.
function(picture_blocks text kind keep out)
    set(open "<!--pic:${kind}-->")
    set(close "<!--/pic-->")
    string(LENGTH "${open}" open_length)
    string(LENGTH "${close}" close_length)
    set(result "")
    while(TRUE)
        string(FIND "${text}" "${open}" start)
        if(start EQUAL -1)
            break()
        endif()
        string(SUBSTRING "${text}" 0 ${start} before)
        math(EXPR inner_start "${start} + ${open_length}")
        string(SUBSTRING "${text}" ${inner_start} -1 rest)
        string(FIND "${rest}" "${close}" end)
        if(end EQUAL -1)
            message(FATAL_ERROR "${SOURCE}: ${open} without ${close}")
        endif()
        string(SUBSTRING "${rest}" 0 ${end} inner)
        math(EXPR after_start "${end} + ${close_length}")
        string(SUBSTRING "${rest}" ${after_start} -1 text)
        string(APPEND result "${before}")
        if(keep)
            string(APPEND result "${inner}")
        endif()
    endwhile()
    set(${out} "${result}${text}" PARENT_SCOPE)
endfunction()

file(READ ${SOURCE} page)

# Every picture the build may lack must lie inside a block.
picture_blocks("${page}" tiles OFF bare)
picture_blocks("${bare}" toolbar OFF bare)
if(bare MATCHES "<img[^>]*src=\"(tiles|toolbar)/")
    message(FATAL_ERROR "${SOURCE}: a picture outside a <!--pic:...--> block")
endif()

picture_blocks("${page}" tiles ${TILES} page)
picture_blocks("${page}" toolbar ${TOOLBAR} page)
file(WRITE ${TARGET} "${page}")
