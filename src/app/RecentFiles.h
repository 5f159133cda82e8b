#pragma once

#include <QStringList>

namespace fenwold {

// The four most recently opened or saved files, kept in the settings under the key the tool has
// always used, newest first.
class RecentFiles {
public:
    static constexpr int kMaximum = 4;

    RecentFiles();
    const QStringList& files() const { return files_; }
    void Add(const QString& path);
    void Remove(const QString& path);

private:
    void Save() const;
    QStringList files_;
};

} // namespace fenwold
