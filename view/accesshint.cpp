// The one box beyond the program's designed four: without the udev rule the mouse is found but cannot be
// opened, every command fails silently, and nothing else would tell the user why.

#include "myqquickview.h"
#include "viewlog.h"

void myQQuickView::showAccessHint(const QString &node)
{
    if (m_accessHintShown) {
        qCDebug(lcView) << "access hint already shown in this run;" << node << "still refuses this user";
        return;
    }
    m_accessHintShown = true;
    QString title = applicationName();
    if (title.isEmpty())
        title = QStringLiteral("vesk-config");
    const QString text =
        tr("The mouse is attached, but this user may not open it (%1: permission denied).\n\n"
           "Installed from the package, the access rule is in place already: unplug the mouse and plug it "
           "in again.\n\n"
           "Built from source, install the rule once, then unplug the mouse and plug it in again:\n"
           "    sudo install -m 644 packaging/70-vesk-mouse.rules /etc/udev/rules.d/\n"
           "    sudo udevadm control --reload-rules")
            .arg(node);
    askWarning(title, text, QMessageBox::Ok, QMessageBox::NoButton);
}
