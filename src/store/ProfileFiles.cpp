#include "store/ProfileFiles.h"

#include "store/StoreFormat.h"

#include <memory>

namespace padwright {

void ExportProfile(const TProfile& profile, const QString& path,
                   const AtomicFileFactory& openFile) {
    auto file = openFile(path);
    file->Write(&profile, sizeof profile);
    file->Commit();
}

TProfile* ImportProfile(const QString& path, StableList<TProfile>& profiles, IMessageBoxes& boxes) {
    ReadOnlyFile file(path);
    if (file.Size() != ProfileRecordSize) {
        boxes.Warning(NotAValidProfileText, "Error");
        return nullptr;
    }
    auto record = std::make_unique<TProfile>();
    file.Read(record.get(), sizeof(TProfile));
    return &profiles.push_back(*record);
}

} // namespace padwright
