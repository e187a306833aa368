#include "sharing/TQSharingViewController.h"

#include "core/Strings.h"

namespace pimavo::sharing {

void TQSharingViewController::quitController() {
    if (delegate_) delegate_->sharingViewControllerWantsRelease(this);
}

QString TQSharingViewController::uploadTitle() const {
    return Strings::shared().localized("kShareUpload");
}

} // namespace pimavo::sharing
