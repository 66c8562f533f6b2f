#include "app/CommandLine.h"

int main(int argc, char** argv) { return tessera::app::RunCommandLine(argc, argv); }
