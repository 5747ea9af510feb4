// A main window on its own program folder, shown on the offscreen platform,
// with its dialogs, a clock that does not sleep and its timer held still:
// the tests tick it themselves.
#pragma once

#include "Controls.h"
#include "MainWindow.h"
#include "UiSupport.h"

#include <QCoreApplication>
#include <QTimer>

struct Form
{
    ProgramFolder folder;
    CountingClock clock;
    TMainForm form;

    explicit Form(const std::vector<LevelRecord> &levels,
        const std::string &settings = "[common]\ntongue=0\n",
        const std::vector<std::string> &savedGames = {})
        : folder(levels, settings, savedGames)
        , form(folder.Folder(), folder.Settings())
    {
        Parts(form).Timer->stop();
        Parts(form).view.SetClock(&clock);
        form.show();
        form.CreateDialogs();
        Settle();
    }

    // Lets the window system deliver what is pending (sizes, paints).
    static void Settle()
    {
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
    }
};
