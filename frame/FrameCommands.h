// The frame's own commands: "KVOHelp" opens the help file, "ABOUTKVO" shows the about box.
#pragma once

void cmdHelp();
void cmdAbout();
