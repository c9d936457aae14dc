#pragma once
// The page the Go button opens, compiled into the program as qrc:/quell/product.html.
namespace quell::ui {

// Makes the page's resource available; safe to call more than once.
void RegisterProductPage();

}  // namespace quell::ui
