// Answers the real modal dialogs of a test as a user would.
#include "support/modal_script.h"

#include <gtest/gtest.h>
#include <QApplication>

namespace morv::test {

ModalScript::ModalScript() {
  timer_.setInterval(5);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
  timer_.start();
}

ModalScript::~ModalScript() {
  timer_.stop();
  if (!steps_.empty()) ADD_FAILURE() << steps_.size() << " scripted dialog step(s) never ran";
}

void ModalScript::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr || !modal->isVisible()) return;
  if (steps_.empty()) {
    // A dialog nobody expected: fail, and close it so the test does not hang.
    ADD_FAILURE() << "Unexpected dialog: " << modal->windowTitle().toStdString();
    modal->close();
    return;
  }
  Step step = std::move(steps_.front());
  steps_.pop_front();
  seen_.push_back(modal->windowTitle());
  step(*modal);
}

}  // namespace morv::test
