#include "browser/ExportFrm.h"

#include "browser/CompressTrd.h"
#include "browser/DeCompressTrd.h"
#include "platform/vcl/ErrorReport.h"
#include "platform/vcl/Hourglass.h"

#include <QFile>

TExportForm::TExportForm(QObject* owner, const TSWFHeader& header, const QString& movieFile,
                         const QString& targetFolder)
    : QObject(owner), FHeader(header), FMovieFile(movieFile), FTargetFolder(targetFolder)
{
}

TExportForm::~TExportForm() = default;

void TExportForm::StartExport()
{
    FHourglass = std::make_unique<THourglass>();
    if (FHeader.Compressed)
        FWasCompressed = true;
    if (!FWasCompressed) {
        DoExport();
        return;
    }
    auto* thread = new TDeCompressThread(FMovieFile, FHeader);
    thread->OnTerminate = [this](TThread* t) { AfterDecompress(t); };
    thread->Start();
}

void TExportForm::AfterDecompress(TThread* thread)
{
    auto* worker = static_cast<TDeCompressThread*>(thread);
    if (!worker->Result()) {
        // Still compressed (or damaged): walking it would find nothing, and compressing it
        // again would deflate the compressed body a second time.
        FError = worker->FatalException().isEmpty()
                     ? QStringLiteral("Unable to decompress \"%1\"").arg(FMovieFile)
                     : worker->FatalException();
        FWasCompressed = false;
        Close();
        return;
    }
    FHeader.Signature[0] = 'F';
    FHeader.Compressed = 0;
    DoExport();
}

void TExportForm::DoExport()
{
    try {
        ExportSounds(QFile::encodeName(FMovieFile).toStdString(),
                     QFile::encodeName(FTargetFolder).toStdString());
    } catch (const std::exception& e) {
        FError = QString::fromLocal8Bit(e.what());
    }
    // After an error too: the movie goes back to the form it had before the export.
    if (!FWasCompressed) {
        Close();
        return;
    }
    auto* thread = new TCompressThread(FMovieFile, FHeader);
    thread->OnTerminate = [this](TThread* t) { AfterCompress(t); };
    thread->Start();
}

void TExportForm::AfterCompress(TThread* thread)
{
    auto* worker = static_cast<TCompressThread*>(thread);
    if (worker->Result()) {
        FHeader.Signature[0] = 'C';
        FHeader.Compressed = 1;
    } else if (!worker->FatalException().isEmpty() && FError.isEmpty()) {
        FError = worker->FatalException();
    }
    // A movie below version 6 is not compressed again and stays plain, without a message.
    Close();
}

void TExportForm::Close()
{
    FHourglass.reset();
    const QString error = FError;
    emit Closed();
    deleteLater();
    if (!error.isEmpty())
        ShowDefaultError(error);
}
