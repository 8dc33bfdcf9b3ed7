// Quendral evaluation: scores one participant's answer file and shows the result.

#include "Application.h"

int main(int argc, char* argv[])
{
    return quendral::runQuendralAuswertung(argc, argv);
}
