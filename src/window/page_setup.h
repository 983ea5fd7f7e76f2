// "打印设置": the page set-up dialog on the main window's printer, so that
// the set-up holds for the next print and preview.
#pragma once

class QPrinter;
class QWidget;

// Runs the page set-up dialog on printer; true when accepted.
bool RunPageSetup(QWidget *parent, QPrinter &printer);
