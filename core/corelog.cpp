#include "corelog.h"

Q_LOGGING_CATEGORY(lcStore, "vesk.view")
Q_LOGGING_CATEGORY(lcRunFolder, "vesk.app.runfolder")
