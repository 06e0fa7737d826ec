#pragma once

class Navigator;

// Makes sure the database file can be used (making it on the first start)
// and shows the main menu. When the file cannot be used the operator is
// told which file and why, and false is returned; the file is not touched.
bool startProgram(Navigator& navigator);
