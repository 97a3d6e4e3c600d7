#include "browser/LogReading.h"

#include "platform/Files.h"
#include "platform/Services.h"

#include <chrono>
#include <system_error>

LogReading::~LogReading()
{
    // The decoding owns its bytes; waiting here keeps its thread from outliving the
    // program's objects at exit. It is over long before anyone closes the window.
    if (decoding_.valid())
        decoding_.wait();
}

void LogReading::start(const QString &path)
{
    path_ = path;
    started_ = true;
    // What the thread is given: the file's bytes, "no file", or "read it again in take()".
    enum class Got { Bytes, NoFile, Failed } got = Got::Failed;
    QByteArray bytes;
    try {
        if (auto data = platform::files().readAll(path)) {
            bytes = std::move(*data);
            got = Got::Bytes;
        } else {
            got = Got::NoFile;
        }
    } catch (...) {
    }
    // Only a log with lines is worth a thread of its own.
    const bool worthAThread = got == Got::Bytes && !bytes.isEmpty();
    auto decode = [bytes = std::move(bytes), got]() -> std::optional<visitedlog::ReadLog> {
        if (got == Got::NoFile)
            return visitedlog::ReadLog{};
        if (got == Got::Failed)
            return std::nullopt;
        try {
            return visitedlog::readLog(bytes);
        } catch (...) {
            return std::nullopt;
        }
    };
    if (worthAThread) {
        try {
            // A copy: the bytes are shared, and stay here should no thread start.
            decoding_ = std::async(std::launch::async, decode);
            return;
        } catch (const std::system_error &) {
            // No thread to be had: decoded here.
        }
    }
    std::promise<std::optional<visitedlog::ReadLog>> now;
    now.set_value(decode());
    decoding_ = now.get_future();
}

bool LogReading::ready() const
{
    return started_ && decoding_.valid() && decoding_.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

visitedlog::ReadLog LogReading::take()
{
    std::optional<visitedlog::ReadLog> log;
    if (decoding_.valid())
        log = decoding_.get();
    if (log)
        return std::move(*log);
    // Not decoded on the thread: read and decoded here, a failure thrown to the caller.
    const auto data = platform::files().readAll(path_);
    return data ? visitedlog::readLog(*data) : visitedlog::ReadLog{};
}
