#pragma once

// The review window of one block: every option of the block as a check box, ticked as the
// participant ticked it, its text red where the tick disagrees with the key and black
// where it agrees. When the window is shown it appends the block's section to the open
// report. The six block windows differ only in their catalogue.
//
// The course window shows the same window for viewing only: with one participant's record
// instead of the program-wide one, and without any section, report or file written.

#include "AnswerRecord.h"
#include "ApplicationError.h"
#include "Catalogue.h"

#include <QDialog>
#include <QPalette>

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

class QCheckBox;
class QLabel;
class QScrollArea;

namespace quendral {

class BitBtn;

// A participant's record, shown as it is; the window writes nothing.
struct ViewingOnly {
    AnswerRecord record;
};

class ReviewWindow : public QDialog {
    Q_OBJECT
public:
    // The evaluation program's window: the program-wide answer record, its section appended
    // to the open report.
    ReviewWindow(const ReviewCatalogue& catalogue, QWidget* owner);
    ReviewWindow(const ReviewCatalogue& catalogue, ViewingOnly viewing, QWidget* owner);
    ~ReviewWindow() override;

    const ReviewCatalogue& catalogue() const { return catalogue_; }
    QLabel* questionLabel(int question) const
    {
        return labels_[static_cast<std::size_t>(question - 1)];
    }
    QCheckBox* optionBox(int n) const { return boxes_[static_cast<std::size_t>(n - 1)]; }
    BitBtn* closeButton() const { return BitBtn1; }
    QScrollArea* scrollArea() const { return scrollArea_; }

    // Ticks the boxes from the answer record, then writes the section, turning each
    // agreeing box black as its question is written. Runs once per showing, when the
    // window is shown and before it is first painted; a failed write is reported in an
    // error box over the window once it has come up.
    void FormActivate();
    void BitBtn1Click();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    using LineSink = std::function<int(std::string_view line)>;
    ReviewWindow(const ReviewCatalogue& catalogue, const AnswerRecord* record, LineSink sink,
        QWidget* owner);
    void buildControls(QWidget* content);

    const ReviewCatalogue& catalogue_;
    AnswerRecord viewed_;  // a viewing-only window's own copy of the record
    const AnswerRecord* record_;  // read when the window is shown
    LineSink writeLine_;
    QScrollArea* scrollArea_ = nullptr;
    std::vector<QLabel*> labels_;
    std::vector<QCheckBox*> boxes_;
    BitBtn* BitBtn1 = nullptr;
    QPalette agreeingPalette_;
    bool sectionWritten_ = false;
    std::optional<ApplicationError> pendingError_;
};

}  // namespace quendral
