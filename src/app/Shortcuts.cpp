#include "Shortcuts.h"

#include <QKeySequence>
#include <QStringList>

QKeyCombination PressedKey(int key, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers kept = modifiers
        & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return QKeyCombination(kept, static_cast<Qt::Key>(key));
}

bool IsModifierKey(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
        return true;
    default:
        return false;
    }
}

QString KeyName(QKeyCombination key, int language)
{
    const bool german = language == 1;
    QStringList parts;
    const Qt::KeyboardModifiers m = key.keyboardModifiers();
    if (m & Qt::ControlModifier)
        parts << (german ? QStringLiteral("Strg") : QStringLiteral("Ctrl"));
    if (m & Qt::AltModifier)
        parts << QStringLiteral("Alt");
    if (m & Qt::MetaModifier)
        parts << QStringLiteral("Meta");
    if (m & Qt::ShiftModifier)
        parts << (german ? QStringLiteral("Umschalt") : QStringLiteral("Shift"));
    switch (key.key()) {
    case Qt::Key_PageUp:
        parts << (german ? QStringLiteral("Bild auf") : QStringLiteral("Page Up"));
        break;
    case Qt::Key_PageDown:
        parts << (german ? QStringLiteral("Bild ab") : QStringLiteral("Page Down"));
        break;
    default:
        // Letters, function keys, Esc and the like read the same in both.
        parts << QKeySequence(key.key()).toString(QKeySequence::PortableText);
        break;
    }
    return parts.join(QLatin1Char('+'));
}

QString KeysNote(const std::vector<QKeyCombination> &keys, int language)
{
    if (keys.empty())
        return {};
    QStringList names;
    for (const QKeyCombination key : keys)
        names << KeyName(key, language);
    return QStringLiteral(" (") + names.join(QStringLiteral(", ")) + QLatin1Char(')');
}
