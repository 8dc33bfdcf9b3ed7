// The evaluation program's start-up, through the same function as its main(), up to the
// overall window's first activation and first painted frame. At the first activation the
// window would post its start-up work (the open dialog); the probe clears the flag that asks
// for it just before the window sees the event, so the window handles its activation as
// usual but opens no dialog, and the process ends as soon as both moments are taken. (The
// real-screen benchmark times the start-up to the open dialog painted.)

#include "StartupWatch.h"

#include "Application.h"
#include "QuendralAusw.h"
#include "QuendralGLOBAL.h"

int main(int argc, char* argv[])
{
    quendral::bench::StartupWatch watch(argc, argv, [] { quendral::FirstActivation = 0; });
    return quendral::runQuendralAuswertung(
        argc, argv, [&watch](quendral::Tquendralauswfrm& window) { watch.watch(&window); });
}
