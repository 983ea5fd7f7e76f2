// Combo boxes in the accessibility tree named by their label. Qt's own
// interface names a combo box on Linux by its current value, so a screen
// reader says "GB18030" where the user needs "编码"; here the name is the
// box's accessible name (or the text of the label whose buddy it is) and
// the value is its current text. Its child is the list it opens, and
// "Press" or "ShowMenu" opens it.
#pragma once

// Installs the interface for every QComboBox of the application; call it
// once, before the first box is asked for.
void UseLabelledComboBoxes();
