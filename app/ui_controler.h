#pragma once

#include <QObject>

class QWidget;
class myQQuickView;

// What the frameless scene uses to move and close its window and to raise the busy guard.
class Ui_Controler : public QObject
{
    Q_OBJECT

public:
    explicit Ui_Controler(QObject *parent = nullptr);

    // Dresses the main window and builds the view that hosts the scene in it.
    void setupUi(QWidget *window);

    QWidget *window() const { return m_window; }
    myQQuickView *view() const { return m_view; }

public Q_SLOTS:
    void onMinimize();
    // A press on the scene's background that may drag the window. Where the program may not place its own
    // window (Wayland), the compositor moves it and this returns true: the scene sends no position changes.
    bool onDragStarted();
    void onXChanged(int x);
    void onYChanged(int y);
    void setBusy(int busyTime = 0);

private:
    QWidget *m_window = nullptr;
    myQQuickView *m_view = nullptr;
};
