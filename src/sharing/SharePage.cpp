#include "sharing/SharePage.h"

namespace pimavo::sharing {

void SharePage::quit() {
    emit releaseRequested();
}

QString SharePage::uploadTitle() const {
    return tr("Upload");
}

} // namespace pimavo::sharing
