// Builds the shipped database files from the vocabulary source:
//   build_words SOURCE OUTPUT_FOLDER
// writes qmlexi.dic (the words in study order), fallible.dic and falliblebak.dic (empty lists).
// Each file is written beside its target and renamed into place, so a failed build leaves no
// half-made file.

#include "words/codec.h"
#include "words/recordset.h"
#include "words/word_line.h"
#include "words/word_store.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <exception>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::unique_ptr<words::Database> fresh(const fs::path& file) {
    fs::remove(file);
    return words::Database::create(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SOURCE OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    try {
        QFile source(QString::fromLocal8Bit(argv[1]));
        if (!source.open(QIODevice::ReadOnly | QIODevice::Text)) {
            std::fprintf(stderr, "cannot read %s\n", argv[1]);
            return 1;
        }
        QStringList lines;
        QTextStream in(&source);
        in.setEncoding(QStringConverter::Utf8);
        while (!in.atEnd()) {
            lines << in.readLine();
        }
        const fs::path out(argv[2]);
        fs::create_directories(out);

        const fs::path wordPart = out / "qmlexi.dic.part";
        {
            auto db = fresh(wordPart);
            words::createWordTable(*db, words::kWordTable);
            db->begin();
            // qmuse falls strictly with the position: the last word keeps 30, still in play.
            const int count = static_cast<int>(lines.size());
            for (int i = 0; i < count; ++i) {
                const auto line = words::parseWordLine(lines[i]);
                if (!line) {
                    std::fprintf(stderr, "%s:%d: not a word line\n", argv[1], i + 1);
                    return 1;
                }
                const QString note = words::toStoredNote(line->gloss);
                if (words::fromStoredNote(note) != line->gloss) {
                    // The codec writes "?" for a character that GBK cannot hold; the word is
                    // kept, but its gloss needs mending in the source.
                    std::fprintf(stderr, "%s:%d: warning: gloss has characters outside GBK\n",
                                 argv[1], i + 1);
                }
                db->execute(QStringLiteral("insert into qmlexitable (qmword, qmnote, qmuse, "
                                           "qmdelete) values (?, ?, ?, ?)"),
                            {line->word, note, static_cast<double>(30 + count - 1 - i), 10.0});
            }
            db->commit();
        }
        fs::rename(wordPart, out / words::kWordFile);

        for (const char* name : {words::kNewWordFile, words::kNewWordTemplate}) {
            const fs::path part = out / (std::string(name) + ".part");
            {
                auto db = fresh(part);
                words::createWordTable(*db, words::kNewWordTable);
            }
            fs::rename(part, out / name);
        }
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
