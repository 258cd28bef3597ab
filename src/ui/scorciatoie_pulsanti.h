// A button's Alt letter is one press of the button, however quickly another
// click, Space or Enter follows it; a double-click on a push button is one
// click.
//
// Qt answers the letter with a delayed click: the button is drawn pressed
// and clicked 100 ms later, whatever happened meanwhile. A click, Space or
// Enter on the button within that time would run its action twice, and in
// the start menu Enter would open a form that the late click then opens
// again (or runs "Stampa Dati" under). Qt takes a double-click for two
// clicks: "Bozza" or "Stampa" would write and open their document twice.
#pragma once

// Handles every button's Alt letter in the program from now on (once; later
// calls do nothing): the button is drawn pressed for the same moment and
// then clicked only if that press is still pending: not ended by a click,
// Space or Enter on the button, and the button still one the user could
// click (shown, enabled, not under a modal window). The second press of a
// double-click on a push button does nothing.
void installa_scorciatoie_pulsanti();
