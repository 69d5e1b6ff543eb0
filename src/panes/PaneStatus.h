#pragma once
// What the panes may show in the frame's status bar: a prompt in the first pane and
// a progress bar in the second, while a long grid update or clear runs.

#include <QString>

namespace radove {

class PaneStatus {
 public:
  virtual ~PaneStatus() = default;
  virtual void SetPrompt(const QString& text) = 0;
  virtual void BeginProgress(int range) = 0;
  virtual void StepProgress(int value) = 0;
  virtual void EndProgress() = 0;
};

}  // namespace radove
