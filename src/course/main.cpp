// Quendral Kursauswertung: the trainer's window onto a whole course, live.

#include "CourseApplication.h"

int main(int argc, char* argv[])
{
    return quendral::course::runQuendralKurs(argc, argv);
}
