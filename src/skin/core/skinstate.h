// The skin engine core's own state: what every unit of the core and of the
// form and control skinning shares for the run of the program.
#pragma once

#include <vector>

#include "framework/forms.h"

namespace kova::skin {

// The forms that own a skin provider, in order of registration; entries may
// be nullptr only transiently.
std::vector<TCustomForm*>& SkinnedForms();
void AddSkinnedForm(TCustomForm* form);
// Each entry equal to the form takes the last entry's place.
void RemoveSkinnedForm(TCustomForm* form);

// Painting of skinned windows is suspended while the default manager keeps
// its forms frozen for a skin change: adapters, providers and controls skip
// painting while it is true. Counted, so that nested freezes end with the
// outermost one.
bool PaintingSuspended();
class TPaintingSuspendedScope {
public:
    TPaintingSuspendedScope();
    ~TPaintingSuspendedScope();
    TPaintingSuspendedScope(const TPaintingSuspendedScope&) = delete;
    TPaintingSuspendedScope& operator=(const TPaintingSuspendedScope&) = delete;
};

// The end of the session: set once the system asks to end it (the forms'
// WM_QUERYENDSESSION handling); from then on work that would show windows
// is not started. While the busy counter is above 0 the engine is in the
// middle of work (a skin change) that the end of the session waits for.
extern bool SkinShuttingDown;
int SkinBusyCount();
class TSkinBusyScope {
public:
    TSkinBusyScope();
    ~TSkinBusyScope();
    TSkinBusyScope(const TSkinBusyScope&) = delete;
    TSkinBusyScope& operator=(const TSkinBusyScope&) = delete;
};

}  // namespace kova::skin
