// Compresses a movie in place on a worker thread (the sound export's last step).
#pragma once

#include "common/SWFFile.h"
#include "platform/vcl/Thread.h"

#include <QString>

#include <atomic>

class TCompressThread : public TThread {
    Q_OBJECT
public:
    TCompressThread(const QString& fileName, const TSWFHeader& header);
    // What CompressSWF returned; false also when it raised an error (see FatalException).
    bool Result() const { return FResult; }

protected:
    void Execute() override;

private:
    QString FFileName;
    TSWFHeader FHeader;
    std::atomic<bool> FResult{false};
};
