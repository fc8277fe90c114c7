// Requests of the worker thread for work that must be done on the main
// thread: building and pushing a dialog, showing a screen, refreshing a
// panel. The worker posts a function and waits; the main thread runs the
// posted functions in its frame move (DrainMainThreadRequests).
#pragma once

#include <atomic>
#include <functional>

// Worker thread: posts request and returns once the main thread has run it
// (true). Every poll of the wait (every kMainThreadPollMs, under the
// framework lock) also looks at stop: when it is set and the request has not
// been started, the request is withdrawn and false is returned; a request
// already running is waited for, since it may use the caller's data. The
// caller must not hold the framework lock. Called on the main thread the
// request simply runs at once.
bool RunOnMainThread(std::function<void()> request, const std::atomic<bool>* stop = nullptr);

// Any thread: request runs on the main thread, at once when called there,
// else in the next drain (in posting order with the other requests); the
// caller does not wait for it.
void PostToMainThread(std::function<void()> request);

// Drops every request not yet started; a worker waiting for one in
// RunOnMainThread gets false. Called when the world the requests were
// about is freed.
void DiscardMainThreadRequests();

// Main thread: runs, in posting order, the requests posted so far (a request
// posted meanwhile waits for the next call). Each runs under the framework
// lock. A request that throws ends the drain with its exception; the ones
// after it stay queued.
void DrainMainThreadRequests();

// Requests posted and not yet started.
int PendingMainThreadRequests();

// The thread that drains the queue: the thread of the program's static
// set-up, or the calling thread from this call on.
void SetMainThreadToCurrent();
// True on the thread that drains the queue.
bool IsMainThread();

constexpr int kMainThreadPollMs = 10;
