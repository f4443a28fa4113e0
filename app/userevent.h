#pragma once

#include <QEvent>

// Posted to the main window to start the scene once everything queued before it has run.
class UserEvent : public QEvent
{
public:
    static constexpr int RunUi = 2177;

    explicit UserEvent(int code)
        : QEvent(QEvent::User)
        , code(code)
    {}

    int code;
};
