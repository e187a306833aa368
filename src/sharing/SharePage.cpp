#include "sharing/SharePage.h"

#include "core/Strings.h"

namespace pimavo::sharing {

void SharePage::quitController() {
    if (delegate_) delegate_->sharingViewControllerWantsRelease(this);
}

QString SharePage::uploadTitle() const {
    return Strings::shared().localized("kShareUpload");
}

} // namespace pimavo::sharing
