#include "core/modMain.h"

MenuCollection colMenus;
std::string sGamePath;
std::string sCfgFile;
std::string sPickedScenario;
bool bAutoSave = false;
bool bOpenLinkOnShow = false;
