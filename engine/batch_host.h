// SPDX-License-Identifier: MIT
// What starting and finishing a hashing batch needs of the window, called on its thread only.
#pragma once

namespace rizo {

class BatchHost {
public:
    virtual ~BatchHost() = default;
    // Sorting by a column-header click: off while a batch runs, so queued rows stay valid.
    virtual void SetSortable(bool on) = 0;
    virtual void RefreshCommandStates() = 0;
    virtual void MarkDuplicates() = 0;
    // Refreshes the progress panes and the highlighted row from the worker's progress state.
    virtual void ShowProgress() = 0;
    // Called only when the batch's options ask for a beep.
    virtual void Beep() = 0;
    // The worker has started; whole-batch progress can be followed from now on.
    virtual void BatchStarted() {}
};

}  // namespace rizo
