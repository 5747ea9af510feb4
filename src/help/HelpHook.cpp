#include "HelpHook.h"

#include "HelpLayer.h"
#include "HelpViewer.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

QString CleanHelpPath(QString path)
{
    return path.replace(QLatin1String("%20"), QLatin1String(" ")).trimmed();
}

const char *HelpCommandName(int command)
{
    switch (command) {
    case 0x0001:
        return "HELP_CONTEXT";
    case 0x0002:
        return "HELP_QUIT";
    case 0x0003:
        return "HELP_INDEX";
    case 0x0004:
        return "HELP_HELPONHELP";
    case 0x0005:
        return "HELP_SETINDEX";
    case 0x0008:
        return "HELP_CONTEXTPOPUP";
    case 0x0009:
        return "HELP_FORCEFILE";
    case 0x000A:
        return "HELP_CONTEXTMENU";
    case 0x000B:
        return "HELP_FINDER";
    case 0x000C:
        return "HELP_WM_HELP";
    case 0x000D:
        return "HELP_SETPOPUP_POS";
    case 0x0101:
        return "HELP_KEY";
    case 0x0102:
        return "HELP_COMMAND";
    case 0x0105:
        return "HELP_PARTIALKEY";
    case 0x0201:
        return "HELP_MULTIKEY";
    case 0x0203:
        return "HELP_SETWINPOS";
    default:
        return "unknown";
    }
}

namespace {

std::unique_ptr<THelpViewer> MakeViewer()
{
    // Without a widget application there is nothing to show a window with.
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return nullptr;
    return std::make_unique<THelpViewer>();
}

} // namespace

THookHelpSystem::THookHelpSystem(QString helpFile, QString windowDefinition, int viewerKind)
    : helpFile_(std::move(helpFile))
    , windowDefinition_(std::move(windowDefinition))
    , viewerKind_(viewerKind)
    , viewerFactory_(MakeViewer)
{
    Log(QStringLiteral("THookHelpSystem created: help file \"%1\", window definition \"%2\", "
                       "viewer kind %3")
            .arg(helpFile_, windowDefinition_)
            .arg(viewerKind_));
}

THookHelpSystem::~THookHelpSystem()
{
    Log(QStringLiteral("THookHelpSystem destroyed"));
}

void THookHelpSystem::SetGameWindow(QWidget *game)
{
    game_ = game;
}

void THookHelpSystem::Log(const QString &text) const
{
    if (const HelpLayer *layer = HelpLayer::Current())
        layer->Log().Add(text);
}

bool THookHelpSystem::HelpCommand(int command, qintptr data)
{
    Log(QStringLiteral("HelpCommand %1 %2, data %3")
            .arg(command)
            .arg(QLatin1String(HelpCommandName(command)))
            .arg(data));
    switch (command) {
    case HELP_CONTEXT:
    case HELP_CONTEXTPOPUP:
        ShowTopic(static_cast<int>(data));
        return true;
    case HELP_SETPOPUP_POS:
        popupPosition_ = QPoint(
            static_cast<qint16>(data & 0xFFFF), static_cast<qint16>((data >> 16) & 0xFFFF));
        return true;
    default:
        // Left to the default help handling, which has no help file and so
        // does nothing: no window opens or closes, also for the quit command.
        return false;
    }
}

THookHelpSystem::TopicResult THookHelpSystem::ShowTopic(int context)
{
    const QString file = CleanHelpPath(helpFile_);
    if (!viewer_)
        viewer_ = viewerFactory_();
    if (!viewer_) {
        Log(QStringLiteral("Show topic %1 of \"%2\": result %3")
                .arg(context)
                .arg(file)
                .arg(NotInstalled));
        const QString text = QStringLiteral("MS Html Help is not installed on this PC.");
        Log(QStringLiteral("Message: ") + text);
        if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
            QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), text,
                QMessageBox::Ok);
            box.exec();
        }
        return NotInstalled;
    }
    // A window being opened goes beside the game; one already open stays
    // where the player has put it.
    if (game_ && !viewer_->isVisible())
        viewer_->PlaceBeside(*game_);
    viewer_->ShowTopic(file, context);
    Log(QStringLiteral("Show topic %1 of \"%2\": result %3")
            .arg(context)
            .arg(file)
            .arg(TopicShown));
    return TopicShown;
}
