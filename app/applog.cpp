#include "applog.h"

Q_LOGGING_CATEGORY(lcMain, "vesk.app.main")
Q_LOGGING_CATEGORY(lcWidget, "vesk.app.window")
Q_LOGGING_CATEGORY(lcControler, "vesk.app.controler")
Q_LOGGING_CATEGORY(lcSingle, "vesk.app.single")
Q_LOGGING_CATEGORY(lcGraphicsApi, "vesk.app.graphics")
