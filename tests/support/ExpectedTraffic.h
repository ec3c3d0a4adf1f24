#pragma once

#include "support/FakeMainWindowView.h"
#include "support/Traffic.h"

// What the long exchanges send and show, built from their parts, for tests to compare against.

// Reset of every scene: per scene its selection and its clearing (zeros for every channel on a
// Mk1, the clear command otherwise), then scene 1 once more.
QList<Bytes> resetAllFrames(bool mk1, int channels, int scenes);
QList<StatusLine> resetAllStatuses(int scenes);

// Read Data after the generation and size are asked: per scene its selection and the read, then
// scene 1 once more.
QList<Bytes> readAllFrames(int scenes);
QList<StatusLine> readAllStatuses(const StatusLine& detected, int scenes);
