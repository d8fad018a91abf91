#pragma once

#include <QString>
#include <functional>
#include <vector>

class ClassifierKeyMap;

// What the key legend lists: one row per binding, in binding order, with the
// number of this run's moved recordings its folder holds now, and whether that
// folder is there.
// The rows change only on Refresh, which looks at the disk once per bound folder.
class KeyLegend {
public:
    struct Row {
        QString keyText;  // "CTRL+A key"
        bool classifyAll = false;
        QString folder;  // as bound, with its final "/"
        bool folderMissing = false;
        int moved = 0;

        // "All" or "Selection", as the key list file says it.
        QString ActsOn() const;
        // The folder, followed by " (missing)" when it is not there.
        QString FolderText() const;
    };
    // How many of the recordings moved in this run `folder` holds now.
    using MovedCount = std::function<int(const QString& folder)>;

    // `keyMap` must outlive the legend.
    KeyLegend(const ClassifierKeyMap& keyMap, MovedCount movedInto);

    void Refresh();
    const std::vector<Row>& Rows() const { return m_rows; }

private:
    const ClassifierKeyMap& m_keyMap;
    MovedCount m_movedInto;
    std::vector<Row> m_rows;
};
