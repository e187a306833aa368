#include "ColorPanel.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLayout>
#include <QPointer>

namespace pimavo {

namespace {

// The shared colour window.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(pimavo::ColorPanel)
};

QPointer<QColorDialog> gPanel;
} // namespace

QColorDialog* sharedColorPanel() {
    if (!gPanel) {
        gPanel = new QColorDialog();
        // Our own dialog: a portal's would be modal, and colours would not arrive while choosing.
        gPanel->setOptions(QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
        gPanel->setWindowTitle(Texts::tr("Colours"));
        gPanel->setAttribute(Qt::WA_DeleteOnClose, false);
        gPanel->setModal(false);
        // Colours arrive as they are chosen, so OK and Cancel would mean nothing; a window that stays
        // open beside the work still needs a way to put it away.
        if (auto* layout = gPanel->layout()) {
            auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, gPanel);
            buttons->setObjectName("colorPanelButtons");
            QObject::connect(buttons, &QDialogButtonBox::rejected, gPanel.data(), &QWidget::close);
            layout->addWidget(buttons);
        }
    }
    return gPanel;
}

bool isColorPanelShown() {
    return gPanel && gPanel->isVisible();
}

} // namespace pimavo
