#pragma once

#include "config.h"

namespace lumora {

// Loads the configuration from the three INI files before the main window exists.
class TDataModule1 {
public:
    // programFilePath: full path of the program file; appDir is its directory.
    TDataModule1(Config& config, QString programFilePath);

    void DataModuleCreate();
    // Sets the paths and creates local.ini with its defaults when it is missing. Never throws.
    void initLocalConfig();
    // Fills the values from the three files; a failure ends only the stage it happens in.
    void loadConfig();

private:
    Config& m_config;
    QString m_programFilePath;

    void loadLocalIni();
    bool loadSourceMarker();
    void loadPlatformIni();
};

// Counts this start in local.ini; errors are ignored.
void countStart(const Config& config);

} // namespace lumora
