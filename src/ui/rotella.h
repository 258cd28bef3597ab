// The mouse wheel over a form's lists and number boxes.
#pragma once

class QWidget;

// No combo box or spin box inside `finestra` takes a wheel turn, whether or
// not it has the keyboard focus: the turn scrolls the page under the
// pointer, which is what the user meant, and never gives the focus. A page
// scrolled back to a list would otherwise turn the list's value unseen on
// its way, and the value would be saved. Values change by a click or by the
// keys; an open drop-down list is a window of its own and still scrolls its
// items under the wheel.
void rotella_alla_pagina(QWidget* finestra);
