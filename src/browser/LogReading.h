#pragma once
#include "browser/VisitedLog.h"

#include <QString>

#include <future>
#include <optional>

// One reading of the visited-links log: the file is read on the calling thread, its
// decoding (most of the cost of a full log) runs on a thread of its own.
class LogReading {
public:
    LogReading() = default;
    LogReading(const LogReading &) = delete;
    LogReading &operator=(const LogReading &) = delete;
    ~LogReading();

    // Reads the file now and hands its decoding to another thread (decodes it here
    // when no thread can be had). A missing or unreadable file reads as an empty log.
    void start(const QString &path);
    bool started() const { return started_; }
    // Started, and the decoding is over: take() will not wait.
    bool ready() const;
    // The lines read, once; only after start(). Waits for the decoding if need be, and
    // reads here what the thread could not decode.
    visitedlog::ReadLog take();

private:
    QString path_;
    bool started_ = false;
    // nullopt when the decoding failed on its thread.
    std::future<std::optional<visitedlog::ReadLog>> decoding_;
};
