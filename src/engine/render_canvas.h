// The surface the renderer draws on: pixels it fills directly, text, and a lock for the worker.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "engine/pixel_buffer.h"

namespace morv {

class TRenderCanvas {
 public:
  virtual ~TRenderCanvas() = default;

  virtual TPixelBuffer Pixels() = 0;

  // Writes text with its top-left corner at (x, y), leaving the background behind it as it is.
  virtual void TextOut(int32_t x, int32_t y, const std::string& text) = 0;

  void Lock() { mutex_.lock(); }
  void Unlock() { mutex_.unlock(); }

 private:
  std::mutex mutex_;
};

// A canvas of plain memory: for headless rendering and tests. Text is recorded, not drawn.
class TMemoryCanvas : public TRenderCanvas {
 public:
  TMemoryCanvas(int32_t width, int32_t height);

  TPixelBuffer Pixels() override;
  void TextOut(int32_t x, int32_t y, const std::string& text) override;

  uint32_t Pixel(int32_t x, int32_t y) const;
  const std::vector<std::string>& Texts() const { return texts_; }

 private:
  int32_t width_;
  int32_t height_;
  std::vector<uint32_t> pixels_;
  std::vector<std::string> texts_;
};

}  // namespace morv
