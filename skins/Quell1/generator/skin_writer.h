#pragma once
// Writes every file of the Quell1 skin into one folder: the description,
// frame, outline, button pictures, animated pictures, music and start page.
#include <QString>

namespace quell1 {

struct GeneratorOptions {
    QString outDir;            // the skin folder to fill
    QString iniTemplate;       // Quell1.ini.in
    QString startCard;         // quellcard.htm, copied as it is
    QString photoPath;         // optional: where to write Photo.bmp
    QString photoOutlinePath;  // optional: where to write the Photo picture's outline
    QString previewPrefix;     // optional: PNG previews PREFIX-normal.png, -hover, -pressed
    QString iconDir;           // optional: where to write the desktop icons quell1-48.png and quell1-256.png
};

// An empty text on success, else what went wrong.
QString generateSkin(const GeneratorOptions& options);

// The description text: the template with every @NAME@ replaced from the
// layout table. Unknown placeholders are an error (returned in error).
QString fillDescription(const QString& templateText, QString& error);

}  // namespace quell1
