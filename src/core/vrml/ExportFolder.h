#pragma once
// The folder an export is built in: a hidden folder beside ToGo that takes
// ToGo's place only once the export is complete, so that an export failing
// half-way (a full disk, a file that cannot be read) leaves the last one in
// ToGo exactly as it was. What ToGo keeps from one export to the next (world
// files, subfolders) is carried into the new folder by renaming.

#include "core/files/FileServices.h"

#include <QString>

class ExportFolder {
public:
    explicit ExportFolder(const QString &toGoFolder);
    ~ExportFolder(); // an unfinished export goes
    ExportFolder(const ExportFolder &) = delete;
    ExportFolder &operator=(const ExportFolder &) = delete;

    // Makes ToGo when it is missing, tidies up after an export that was
    // interrupted while taking ToGo's place, and makes the empty folder.
    Status start();
    // Where the new export's files go until finish().
    QString path() const { return m_building; }
    // Carries ToGo's world files and subfolders into the new folder and puts
    // it in ToGo's place. On failure ToGo is left as it was.
    Status finish();

private:
    QString m_toGo;
    QString m_building;  // the new export
    QString m_replaced;  // the old ToGo, for a moment
    bool m_ours = false; // m_building holds only what this export wrote
};
