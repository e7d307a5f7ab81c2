// A Timeline with the show's slot bounds whose draw routines only report which slot was drawn
// and with what `now`, for tests of the frame dispatch.
#pragma once

typedef void (*SlotRecorder)(int slot, int now);  // slot counted from 1

// Installs the recording table (UseTimeline(nullptr) puts the show's own back).
void UseRecordingTimeline(SlotRecorder recorder);
