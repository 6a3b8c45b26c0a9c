// The work of a screen on a thread of its own. The worker never touches a
// control: it posts its progress and its end to the main window and leaves
// its result here for the UI thread to take. A shared flag stops it; a run
// started or stopped since makes the progress of an earlier one, still
// queued, move no bar.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

// A progress message's LPARAM: the percent done, and the run it is of.
inline LPARAM progressOf(unsigned generation, int percent) {
    return static_cast<LPARAM>(((generation & 0xFFFFFFu) << 8) | static_cast<unsigned>(percent));
}

// Posts (message, 0, progressOf(generation, percent)) each time the percent
// done changes; says whether to go on.
class ProgressPoster {
  public:
    ProgressPoster(HWND main, UINT message, unsigned generation, const std::atomic<bool>& stop)
        : main_(main), message_(message), generation_(generation), stop_(stop) {}
    bool operator()(double done) {
        const int now = static_cast<int>(done * 100);
        if (now != percent_)
            PostMessageW(main_, message_, 0, progressOf(generation_, percent_ = now));
        return !stop_;
    }
    // Posts (message, what, progressOf(generation, 0)): a stage of the run
    // begins, and the bar with it.
    void stage(WPARAM what) {
        percent_ = 0;
        PostMessageW(main_, message_, what, progressOf(generation_, 0));
    }
    bool stopped() const { return stop_; }

  private:
    HWND main_;
    UINT message_;
    unsigned generation_;
    const std::atomic<bool>& stop_;
    int percent_ = -1;
};

template <class Result>
class ScreenWorker {
  public:
    // Its messages: wParam 0 with progressOf in lParam, 1 when a run ended.
    explicit ScreenWorker(UINT message) : message_(message) {}
    ScreenWorker(const ScreenWorker&) = delete;
    ScreenWorker& operator=(const ScreenWorker&) = delete;
    ~ScreenWorker() { halt(); }

    // Runs work(poster) on the thread, after any earlier run has stopped (what
    // that one left is dropped: its end message finds nothing); what it
    // returns is left for take(). Nothing may leave work.
    template <class Work>
    void start(HWND main, Work work) {
        halt();
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            finished_.reset();
        }
        stop = false;
        const unsigned generation = ++generation_;
        thread_ = std::thread([this, main, work, generation]() mutable {
            ProgressPoster poster(main, message_, generation, stop);
            std::unique_ptr<Result> result = work(poster);
            {
                const std::lock_guard<std::mutex> lock(mutex_);
                finished_ = std::move(result);
            }
            PostMessageW(main, message_, 1, 0);
        });
    }
    // Stops a run and waits for it; whether one was running.
    bool halt() {
        if (!thread_.joinable()) return false;
        stop = true;
        ++generation_;
        thread_.join();
        return true;
    }
    bool running() const { return thread_.joinable(); }
    // What the last run left, once; nullptr when taken already.
    std::unique_ptr<Result> take() {
        std::unique_ptr<Result> result;
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            result = std::move(finished_);
        }
        if (result && thread_.joinable()) thread_.join();
        return result;
    }
    // Counts the runs started and stopped.
    unsigned generation() const { return generation_; }
    // Whether a progress message's lParam is of the run going on now.
    bool current(LPARAM progress) const {
        return progressOf(generation_, 0) == (progress & ~LPARAM{0xFF});
    }

    std::atomic<bool> stop{false};

  private:
    UINT message_;
    std::thread thread_;
    unsigned generation_ = 0;
    std::mutex mutex_;
    std::unique_ptr<Result> finished_;
};
