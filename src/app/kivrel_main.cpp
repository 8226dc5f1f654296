// Kivrel, the word search puzzle maker: the windowed program.
#include "ui/KivrelApp.h"

int main(int argc, char** argv) { return kivrel::RunKivrel(argc, argv); }
