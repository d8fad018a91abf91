#pragma once

#include <QString>
#include <vector>

// What the control module's analysis found in one recording, as the program keeps it.
struct WaveFingerprint {
    bool analysed = false;
    QString status;           // the module's few words: "analysed", "not a readable wave file", ...
    int version = 0;          // of the module's analysis; fingerprints of two versions differ
    float activityDb = 0.0f;  // the loudest event over the recording's background
    std::vector<float> features;  // empty unless analysed
};
