// A button's Alt letter is one press of the button, however quickly another
// click, Space or Enter follows it.
//
// Qt answers the letter with a delayed click: the button is drawn pressed
// and clicked 100 ms later, whatever happened meanwhile. A click, Space or
// Enter on it within that time ran its action a second time, and Enter in
// the start menu opened a form that the letter's late click then opened
// again (or ran "Stampa Dati" under).
#pragma once

// Handles every button's Alt letter in the program from now on (once; later
// calls do nothing): the button is drawn pressed for the same moment and
// then clicked only if that press is still pending: not ended by a click,
// Space or Enter on the button, and the button still one the user could
// click (shown, enabled, not under a modal window).
void installa_scorciatoie_pulsanti();
