#pragma once

#include <QString>

class Navigator;

// Takes the program folder for this program (one running program per
// folder; a lock left by a program that is gone does not count), makes sure
// the database file can be used (making it on the first start, bringing an
// earlier version forward) and shows the main menu. When another program
// holds the folder, the folder cannot be written or the file cannot be used
// the operator is told which folder or file and why, and false is returned;
// nothing is touched. The folder stays taken for as long as the navigator lives.
bool startProgram(Navigator& navigator);
