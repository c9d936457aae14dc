// quell1_generator: draws and writes every file of the Quell1 sample skin.
//   quell1_generator --out DIR --template Quell1.ini.in --card quellcard.htm
//                    [--photo Photo.bmp] [--photo-outline photo.dat] [--icon-dir DIR] [--preview PREFIX]
#include <QGuiApplication>
#include <QString>
#include <QStringList>

#include <cstdio>

#include "skin_writer.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    quell1::GeneratorOptions options;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        const QString& key = args[i];
        const QString& value = args[i + 1];
        if (key == "--out") options.outDir = value;
        else if (key == "--template") options.iniTemplate = value;
        else if (key == "--card") options.startCard = value;
        else if (key == "--photo") options.photoPath = value;
        else if (key == "--photo-outline") options.photoOutlinePath = value;
        else if (key == "--preview") options.previewPrefix = value;
        else if (key == "--icon-dir") options.iconDir = value;
        else {
            std::fprintf(stderr, "quell1_generator: unknown option %s\n", qPrintable(key));
            return 2;
        }
    }
    if (options.outDir.isEmpty() && options.previewPrefix.isEmpty()) {
        std::fprintf(stderr,
                     "usage: quell1_generator --out DIR --template FILE --card FILE [--photo FILE]"
                     " [--photo-outline FILE] [--icon-dir DIR] [--preview PREFIX]\n");
        return 2;
    }
    const QString error = quell1::generateSkin(options);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "quell1_generator: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
