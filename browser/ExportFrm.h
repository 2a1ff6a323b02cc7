// TExportForm: the invisible coordinator of one sound export. A compressed movie is
// decompressed in place on a worker thread, its sounds are written, and it is compressed
// again on a worker thread; a plain movie is exported at once. The coordinator holds the
// hourglass from StartExport until it closes, and frees itself when it closes.
#pragma once

#include "common/SWFFile.h"

#include <QObject>
#include <QString>

#include <memory>

class TThread;
class THourglass;

class TExportForm : public QObject {
    Q_OBJECT
public:
    TExportForm(QObject* owner, const TSWFHeader& header, const QString& movieFile,
                const QString& targetFolder);
    ~TExportForm() override;

    void StartExport();

    const TSWFHeader& Header() const { return FHeader; }
    bool WasCompressed() const { return FWasCompressed; }

signals:
    void Closed();   // emitted just before the coordinator frees itself

private:
    void AfterDecompress(TThread* thread);
    void DoExport();
    void AfterCompress(TThread* thread);
    void Close();

    TSWFHeader FHeader;
    QString FMovieFile;
    QString FTargetFolder;
    bool FWasCompressed = false;
    QString FError;   // reported when the chain has put the movie back as it was
    std::unique_ptr<THourglass> FHourglass;
};
