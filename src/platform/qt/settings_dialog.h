#pragma once
// The family's settings dialog: edits the shared configuration file and
// answers > 0 when something was changed (the callers then reload).
#include <QDialog>

#include "platform/profile.h"

namespace qm::platform {

// Shows the dialog modally. Result: the number of keys changed, 0 when the
// user cancelled or changed nothing, -errno when saving failed (the dialog
// has already said so).
int RunSettingsDialog(ProfileFile& profile, QWidget* parent = nullptr);

}  // namespace qm::platform
