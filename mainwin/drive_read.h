#pragma once
// One read of several requests to one drive that a click, a tab, a view, a
// dialog or a wizard page starts. Window events run between a request's
// tries; a drive known to be silent gets one try; once a request has failed
// all its tries the rest of the read is not sent (each failed request counts
// once in the link's tallies), and the drive counts as silent until it
// answers again.
//
//   mainwin::DriveRead read(win, node);
//   for (...) if (!read.Ask([&] { v = win.Link.ValueOf(node, name); })) break;
//   if (read.Failed()) ... show read.NotAnswering(), no invented value ...
#include <cstdint>
#include <functional>
#include <string>

class MainWin;

namespace mainwin {

class DriveRead {
 public:
  DriveRead(MainWin& win, int node);
  ~DriveRead();
  DriveRead(const DriveRead&) = delete;
  DriveRead& operator=(const DriveRead&) = delete;

  // Runs one request of the read, unless an earlier one failed: then nothing
  // is sent. True when the request got its answer.
  bool Ask(const std::function<void()>& request);
  // A request of this read failed all its tries.
  bool Failed() const { return failed_; }
  int Node() const { return node_; }
  // "Node n does not answer": what a view shows in place of a reading.
  std::string NotAnswering() const { return NotAnswering(node_); }
  static std::string NotAnswering(int node);

 private:
  MainWin& win_;
  int node_;
  bool failed_ = false;
  uint64_t othersFailed_ = 0;  // failures of requests sent between this request's tries
  bool pumping_ = false;       // window events run between two tries
  std::function<bool(int)> saved_;
};

}  // namespace mainwin
