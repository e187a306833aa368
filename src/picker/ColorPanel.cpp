#include "ColorPanel.h"

#include <QColorDialog>
#include <QPointer>

namespace pimavo {

namespace {
QPointer<QColorDialog> gPanel;
}

QColorDialog* sharedColorPanel() {
    if (!gPanel) {
        gPanel = new QColorDialog();
        // Our own dialog: a portal's would be modal, and colours would not arrive while choosing.
        gPanel->setOptions(QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
        gPanel->setWindowTitle(QObject::tr("Colours"));
        gPanel->setAttribute(Qt::WA_DeleteOnClose, false);
        gPanel->setModal(false);
    }
    return gPanel;
}

bool isColorPanelShown() {
    return gPanel && gPanel->isVisible();
}

} // namespace pimavo
