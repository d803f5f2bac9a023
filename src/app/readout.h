// The five lines of the debug read-out, formatted from the current state.
#pragma once

constexpr int READOUT_LINES = 5;
constexpr int READOUT_LINE_SIZE = 128;

struct ReadoutText {
    char lines[READOUT_LINES][READOUT_LINE_SIZE];
};

ReadoutText formatReadout();
