#include "store/DataFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace padwright {

QString DataFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Padwright"));
}

} // namespace padwright
