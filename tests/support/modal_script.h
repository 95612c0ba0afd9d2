// Answers the real modal dialogs of a test as a user would, one step per dialog shown.
#pragma once

#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>

namespace morv::test {

class ModalScript {
 public:
  // Each step receives the modal window that shows next and must close it.
  using Step = std::function<void(QWidget&)>;

  ModalScript();
  ~ModalScript();

  ModalScript(const ModalScript&) = delete;
  ModalScript& operator=(const ModalScript&) = delete;

  void Then(Step step) { steps_.push_back(std::move(step)); }

  // The window titles of the modal windows handled, in order.
  const QStringList& Seen() const { return seen_; }
  bool Done() const { return steps_.empty(); }

 private:
  void Poll();

  QTimer timer_;
  std::deque<Step> steps_;
  QStringList seen_;
};

}  // namespace morv::test
