#pragma once

// The printed course report: an A4 PDF in German, drawn with Qt's own PDF writer and the
// charts of CourseCharts.h. Its pages, in order: the title block (what was evaluated, the
// date, how many answer files were evaluated, which did not load and why), the block table
// with the box plots of the block percentages under it, the results table of every
// participant (its header repeated on each page), the item map, and every option with a
// note, with its question and option text. Every number on it is the text of the same cell
// of the CSV tables (Table.h), so the paper and the files cannot disagree.

#include "Course.h"

#include <QDate>

#include <string>

namespace quendral::batch {

// The report's bytes; empty when no PDF could be drawn. Needs a QApplication: a program
// without one makes it with HeadlessApplication.
std::string coursePdf(const Course& course, const QDate& date);

}  // namespace quendral::batch
