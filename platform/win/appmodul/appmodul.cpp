// The main function of a program built on the class library: the library's
// start-up runs the program's application object.
#include "afxwinapp.h"

int main(int argc, char** argv) { return AfxWinMain(argc, argv); }
