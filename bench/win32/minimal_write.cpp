// The yardsticks for a write under Wine: the least a Windows program can do to write a firmware
// file into the module, with the same wake-up, frames and restart as canprog writes. Measured
// beside canprog-cli.exe by wine_upload_timing.
//
//   synchronous (the default): one thread, a port opened without overlapped I/O, one WriteFile
//     per frame and one ReadFile with a time-out per status byte.
//   --threaded: the hand-offs canprog's dispatcher is built on and nothing else: overlapped I/O,
//     a read thread with a read always pending, a write thread woken by an event, the caller
//     waiting on a condition variable for the status byte.
//
// Usage: minimal_write.exe [--threaded] PORT_NUMBER FIRMWARE
#include <windows.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bootloader/BootloaderProtocol.h"
#include "firmware/FirmwareLoader.h"

namespace {

using namespace canprog;

constexpr int kFirstFlashBlock = 32;
constexpr int kLastFlashBlock = 2047;
constexpr int kEepromBlocks = 16;
constexpr DWORD kReplyTimeout_ms = 1000;
constexpr DWORD kProbeTimeout_ms = 150;
constexpr DWORD kReadRound_ms = 50;

struct HandleCloser {
    void operator()(HANDLE handle) const {
        if (handle && handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
    }
};
using Handle = std::unique_ptr<void, HandleCloser>;

Handle openPort(const std::string& number, bool overlapped) {
    const std::string device = "\\\\.\\COM" + number;
    HANDLE port = ::CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, overlapped ? FILE_FLAG_OVERLAPPED : 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) return nullptr;
    DCB settings{};
    settings.DCBlength = sizeof settings;
    ::GetCommState(port, &settings);
    settings.BaudRate = 9600;
    settings.ByteSize = 8;
    settings.Parity = NOPARITY;
    settings.StopBits = ONESTOPBIT;
    settings.fBinary = TRUE;
    ::SetCommState(port, &settings);
    ::PurgeComm(port, PURGE_RXCLEAR | PURGE_TXCLEAR);
    return Handle(port);
}

class Link {
  public:
    virtual ~Link() = default;
    virtual bool write(const std::uint8_t* bytes, DWORD count) = 0;
    virtual bool readByte(std::uint8_t& byte, DWORD timeout_ms) = 0;
    virtual void drain() = 0;
};

class SynchronousLink final : public Link {
  public:
    explicit SynchronousLink(Handle port) : port_(std::move(port)) {}
    bool write(const std::uint8_t* bytes, DWORD count) override {
        DWORD written = 0;
        return ::WriteFile(port_.get(), bytes, count, &written, nullptr) && written == count;
    }
    bool readByte(std::uint8_t& byte, DWORD timeout_ms) override {
        if (timeout_ms != timeout_ms_) {
            COMMTIMEOUTS timeouts{};
            timeouts.ReadTotalTimeoutConstant = timeout_ms;
            ::SetCommTimeouts(port_.get(), &timeouts);
            timeout_ms_ = timeout_ms;
        }
        DWORD got = 0;
        return ::ReadFile(port_.get(), &byte, 1, &got, nullptr) && got == 1;
    }
    void drain() override { ::FlushFileBuffers(port_.get()); }

  private:
    Handle port_;
    DWORD timeout_ms_ = 0;
};

class ThreadedLink final : public Link {
  public:
    explicit ThreadedLink(Handle port)
        : port_(std::move(port)),
          stop_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          outputReady_(::CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
        COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, 0};
        ::SetCommTimeouts(port_.get(), &timeouts);
        reader_ = std::thread([this] { readLoop(); });
        writer_ = std::thread([this] { writeLoop(); });
    }
    ~ThreadedLink() override {
        ::SetEvent(stop_.get());
        ::CancelIoEx(port_.get(), nullptr);
        reader_.join();
        writer_.join();
    }
    bool write(const std::uint8_t* bytes, DWORD count) override {
        {
            std::lock_guard lock(mutex_);
            output_.insert(output_.end(), bytes, bytes + count);
        }
        ::SetEvent(outputReady_.get());
        return true;
    }
    bool readByte(std::uint8_t& byte, DWORD timeout_ms) override {
        std::unique_lock lock(mutex_);
        if (!received_.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                                [this] { return !input_.empty(); })) {
            return false;
        }
        byte = input_.front();
        input_.pop_front();
        return true;
    }
    void drain() override {
        std::unique_lock lock(mutex_);
        sent_.wait_for(lock, std::chrono::seconds(2), [this] { return output_.empty() && idle_; });
    }

  private:
    // Waits for an overlapped request; false when stopped or failed.
    bool await(OVERLAPPED& overlapped, DWORD& count) {
        const HANDLE wakes[2] = {overlapped.hEvent, stop_.get()};
        if (::WaitForMultipleObjects(2, wakes, FALSE, INFINITE) != WAIT_OBJECT_0) {
            ::CancelIoEx(port_.get(), &overlapped);
            ::GetOverlappedResult(port_.get(), &overlapped, &count, TRUE);
            return false;
        }
        return ::GetOverlappedResult(port_.get(), &overlapped, &count, FALSE);
    }

    void readLoop() {
        const Handle done(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        std::array<std::uint8_t, 64> buffer{};
        while (::WaitForSingleObject(stop_.get(), 0) == WAIT_TIMEOUT) {
            OVERLAPPED overlapped{};
            overlapped.hEvent = done.get();
            ::ResetEvent(done.get());
            DWORD got = 0;
            if (!::ReadFile(port_.get(), buffer.data(), buffer.size(), &got, &overlapped)) {
                if (::GetLastError() != ERROR_IO_PENDING || !await(overlapped, got)) return;
            }
            if (got == 0) {
                ::WaitForSingleObject(stop_.get(), kReadRound_ms);
                continue;
            }
            {
                std::lock_guard lock(mutex_);
                input_.insert(input_.end(), buffer.begin(), buffer.begin() + got);
            }
            received_.notify_one();
        }
    }

    void writeLoop() {
        const Handle done(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
        const HANDLE wakes[2] = {outputReady_.get(), stop_.get()};
        while (::WaitForMultipleObjects(2, wakes, FALSE, INFINITE) == WAIT_OBJECT_0) {
            std::vector<std::uint8_t> block;
            {
                std::lock_guard lock(mutex_);
                block.swap(output_);
                idle_ = false;
            }
            OVERLAPPED overlapped{};
            overlapped.hEvent = done.get();
            ::ResetEvent(done.get());
            DWORD sent = 0;
            if (!::WriteFile(port_.get(), block.data(), block.size(), &sent, &overlapped)) {
                if (::GetLastError() != ERROR_IO_PENDING || !await(overlapped, sent)) return;
            }
            {
                std::lock_guard lock(mutex_);
                idle_ = true;
            }
            sent_.notify_all();
        }
    }

    Handle port_;
    Handle stop_;
    Handle outputReady_;
    std::mutex mutex_;
    std::condition_variable received_;
    std::condition_variable sent_;
    std::deque<std::uint8_t> input_;
    std::vector<std::uint8_t> output_;
    bool idle_ = true;
    std::thread reader_;
    std::thread writer_;
};

// One frame, scrambled with the key; true when its status byte acknowledges it.
bool sendBlock(Link& link, std::uint8_t key, std::uint8_t command, int address,
               const std::uint8_t* data) {
    std::array<std::uint8_t, kFrameHeaderSize + kBlockSize + 1> frame{};
    const std::uint8_t header[kFrameHeaderSize] = {
        command, 0, static_cast<std::uint8_t>(address >> 8),
        static_cast<std::uint8_t>(address & 0xFF), static_cast<std::uint8_t>(kBlockSize)};
    std::size_t size = 0;
    for (const std::uint8_t b : header) frame[size++] = b ^ key;
    for (int i = 0; i < kBlockSize; ++i) frame[size++] = data[i] ^ key;
    frame[size++] =
        twosComplementChecksum(std::vector<std::uint8_t>(data, data + kBlockSize)) ^ key;
    std::uint8_t status = 0;
    return link.write(frame.data(), static_cast<DWORD>(size)) &&
           link.readByte(status, kReplyTimeout_ms) && status == key;
}

int writeFirmware(Link& link, const FirmwareImages& images) {
    ::Sleep(600);  // the silence the module takes for a reset

    // The wake-up: WAKE and PROBE until the answer, then keep the key.
    const std::uint8_t key = initialLinkKey;
    bool linked = false;
    for (int attempt = 0; attempt < 30 && !linked; ++attempt) {
        const std::uint8_t wake = WAKE;
        const std::uint8_t probe = key ^ PROBE;
        link.write(&wake, 1);
        ::Sleep(150);
        link.write(&probe, 1);
        std::uint8_t answer = 0;
        linked = link.readByte(answer, kProbeTimeout_ms) && (answer ^ key) == ANSWER;
    }
    if (!linked) {
        std::fprintf(stderr, "no bootloader\n");
        return 4;
    }
    const std::uint8_t keep = key ^ KEEP_KEY;
    link.write(&keep, 1);

    for (int block = kFirstFlashBlock; block <= kLastFlashBlock; ++block) {
        if (!sendBlock(link, key, WRITE_FLASH, block * kBlockSize,
                       images.flashImage.data() + block * kBlockSize)) {
            std::fprintf(stderr, "FLASH block %d not acknowledged\n", block);
            return 5;
        }
    }
    for (int block = 0; block < kEepromBlocks; ++block) {
        if (!sendBlock(link, key, WRITE_EEPROM, block * kBlockSize,
                       images.eepromImage.data() + block * kBlockSize)) {
            std::fprintf(stderr, "EEPROM block %d not acknowledged\n", block);
            return 5;
        }
    }
    const std::uint8_t restart[kFrameHeaderSize] = {static_cast<std::uint8_t>(RESTART ^ key), key,
                                                    key, key, key};
    link.write(restart, kFrameHeaderSize);
    link.drain();
    std::printf("written\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool threaded = argc > 1 && std::string(argv[1]) == "--threaded";
    const int first = threaded ? 2 : 1;
    if (argc < first + 2) {
        std::fprintf(stderr, "usage: minimal_write.exe [--threaded] PORT_NUMBER FIRMWARE\n");
        return 1;
    }
    FirmwareImages images;
    images.erase();
    if (!loadFirmwareFile(argv[first + 1], true, images).loaded()) {
        std::fprintf(stderr, "%s: not a firmware file\n", argv[first + 1]);
        return 2;
    }
    Handle port = openPort(argv[first], threaded);
    if (!port) {
        std::fprintf(stderr, "COM%s: cannot open\n", argv[first]);
        return 3;
    }
    if (threaded) {
        ThreadedLink link(std::move(port));
        return writeFirmware(link, images);
    }
    SynchronousLink link(std::move(port));
    return writeFirmware(link, images);
}
