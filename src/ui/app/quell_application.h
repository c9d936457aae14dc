#pragma once
// The application object: runs the start-up sequence and the main window.
namespace quell::ui {
int runApplication(int argc, char** argv);
}
