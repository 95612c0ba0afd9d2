// Keeps the working model in a recovery file for as long as it has changes that are not saved.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

#include "engine/model.h"
#include "platform/recovery_file.h"
#include "ui/model_history.h"

namespace morv {

class TRecoveryKeeper : public QObject {
 public:
  // A change reaches the file this long after it was made, or once the edit under way is done.
  static constexpr int WriteDelayMs = 5000;
  static constexpr int BusyRetryMs = 1000;

  // `busy` is true while an edit is under way whose middle must not be kept, such as a drag.
  TRecoveryKeeper(TModelHistory& history, const TMorvObject& model, std::function<bool()> busy,
                  QObject* parent = nullptr);
  // The run ends properly: its file goes.
  ~TRecoveryKeeper() override;

  // A file left behind by another run, whose model the working one now is, becomes this run's.
  void Adopt(TRecoveryFile file);
  // The file this run keeps; it does not exist while the model has no unsaved changes.
  const TRecoveryFile& File() const { return file_; }

 private:
  void ModelTouched();
  void WriteIfChanged();

  TModelHistory& history_;
  const TMorvObject& model_;
  std::function<bool()> busy_;
  TRecoveryFile file_;
  // The model as the file holds it.
  std::unique_ptr<TMorvObject> written_;
  QTimer timer_;
  bool warned_ = false;
};

}  // namespace morv
