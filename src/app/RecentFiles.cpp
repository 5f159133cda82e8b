#include "app/RecentFiles.h"

#include <QFileInfo>
#include <QSettings>

namespace fenwold {
namespace {

QSettings Settings() {
    return QSettings("Local AppWizard-Generated Applications", "Fenwold");
}

} // namespace

RecentFiles::RecentFiles() {
    QSettings settings = Settings();
    settings.beginGroup("Recent File List");
    for (int i = 1; i <= kMaximum; ++i) {
        const QString file = settings.value(QString("File%1").arg(i)).toString();
        if (!file.isEmpty()) {
            files_.append(file);
        }
    }
}

void RecentFiles::Add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    files_.removeAll(absolute);
    files_.prepend(absolute);
    while (files_.size() > kMaximum) {
        files_.removeLast();
    }
    Save();
}

void RecentFiles::Remove(const QString& path) {
    files_.removeAll(path);
    Save();
}

void RecentFiles::Save() const {
    QSettings settings = Settings();
    settings.beginGroup("Recent File List");
    for (int i = 1; i <= kMaximum; ++i) {
        const QString key = QString("File%1").arg(i);
        if (i <= files_.size()) {
            settings.setValue(key, files_[i - 1]);
        } else {
            settings.remove(key);
        }
    }
}

} // namespace fenwold
