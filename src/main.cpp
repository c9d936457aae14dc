#include "ui/app/quell_application.h"

int main(int argc, char** argv) { return quell::ui::runApplication(argc, argv); }
