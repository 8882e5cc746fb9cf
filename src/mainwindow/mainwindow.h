#pragma once

#include "config.h"

#include <QWidget>

namespace lumora {

class Dialogs;
class WindowSystem;

// The platform parts the main window uses; created in main only.
struct MainWindowServices {
    Dialogs& dialogs;
    WindowSystem& windows;
};

// The program's only main window.
class TfrmMain : public QWidget {
    Q_OBJECT
public:
    TfrmMain(Config& config, MainWindowServices services, QWidget* parent = nullptr);

    void FormCreate();
    void initMainWindow();
    void applyEditionCaptions();
    // Another copy asked this one to show itself.
    void restoreFromHandOver();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Config& m_config;
    MainWindowServices m_services;
};

} // namespace lumora
