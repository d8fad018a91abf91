#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "host/WaveFingerprint.h"

// Analyses one recording; must be safe to call from several threads at once.
using AnalyseFunction = std::function<WaveFingerprint(const QString& path)>;

// The fingerprints of `paths`, in their order, analysed by `threads` threads (the
// machine's cores when 0) taking the next path as each finishes.
std::vector<WaveFingerprint> AnalyseAll(const QStringList& paths, const AnalyseFunction& analyse,
                                        int threads = 0);
