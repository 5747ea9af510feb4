// Keys of the window's commands: how a pressed key is compared with them and
// how a hint names them in either language. The table of commands and their
// keys lives with the toolbar (TMainForm::Commands).
#pragma once

#include <QKeyCombination>
#include <QString>

#include <vector>

// A pressed key as the commands are compared with it: the key with Shift,
// Ctrl, Alt and Meta. The keypad's mark is dropped, so that Page Up on the
// keypad is Page Up.
QKeyCombination PressedKey(int key, Qt::KeyboardModifiers modifiers);

// Shift, Ctrl, Alt and the like, pressed alone: the start of a combination.
bool IsModifierKey(int key);

// A key as a player reads it on the keyboard: "Strg+Bild auf" in German
// (language 1), "Ctrl+Page Up" in English.
QString KeyName(QKeyCombination key, int language);

// The keys of a command as its hint ends: " (Strg+N)", or " (R, Strg+Z)" for
// two keys; nothing for none.
QString KeysNote(const std::vector<QKeyCombination> &keys, int language);
