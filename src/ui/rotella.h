// The mouse wheel over a form's lists and number boxes.
#pragma once

class QWidget;

// Every combo box and spin box inside `finestra` takes a wheel turn only
// while it has the keyboard focus; otherwise the turn scrolls the page under
// the pointer, which is what the user meant, and a turn never gives them the
// focus. A value that changed unseen while the user scrolled would be saved.
void rotella_solo_con_focus(QWidget* finestra);
