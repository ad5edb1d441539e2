// The host's prompt line while a path's moves are written,
// "生成刀位文件 %d/%d" (the move, the path): shown for the first move, then
// every kProgressStep moves and for the last one, not for every move, since
// a path may hold millions.
#pragma once

namespace zu {

inline constexpr int kProgressStep = 1000;

class MoveProgress {
 public:
  // `path` is the second number shown; the first move shown is `start` + 1.
  explicit MoveProgress(int path, int start = 0) : path_(path), moves_(start) {}
  ~MoveProgress();
  MoveProgress(const MoveProgress&) = delete;
  MoveProgress& operator=(const MoveProgress&) = delete;

  // One more move.
  void Next();

 private:
  void Show();
  int path_;
  int moves_;
  int shown_ = -1;
  bool first_ = true;
};

}  // namespace zu
