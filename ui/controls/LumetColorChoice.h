#pragma once

// The choices the per-LED colour group reports to its view.

// 1 = system running (POWER ON), 2 = any other state. The same alias as the
// views'; the group edits scene 0 for 1 and scene 1 otherwise.
using PowerState = int;
// 0 or 1: the first or the second gradient radio button is checked.
using ColorGradient = int;
// 1 when the reverse check box becomes checked, 0 when it becomes unchecked.
using ColorSequence = int;
