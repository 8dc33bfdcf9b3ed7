#pragma once

// Creates the review window of a block and keeps its program-wide reference while it
// exists.

class QWidget;

namespace quendral {

class ReviewWindow;

ReviewWindow* createReviewWindow(int block, QWidget* owner);
void forgetReviewWindow(int block);

}  // namespace quendral
