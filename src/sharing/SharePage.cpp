#include "sharing/SharePage.h"

#include "core/Strings.h"

namespace pimavo::sharing {

void SharePage::quit() {
    emit releaseRequested();
}

QString SharePage::uploadTitle() const {
    return Strings::shared().localized("kShareUpload");
}

} // namespace pimavo::sharing
