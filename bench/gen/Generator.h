#pragma once

#include "core/store/TAnketa.h"

#include <QString>

#include <random>

namespace zelmar::gen {

// How a generated register looks: cards over `years` years up to `lastDay`, register numbers
// starting at 1 every year, the most recent `unprintedShare` of cards not yet printed.
struct Options {
    qint64 cards = 1000;
    double lastDay = 46363.0; // 07.12.2026
    int years = 20;
    double unprintedShare = 0.05;
    unsigned seed = 1;
};

// Makes cards one after another, in register order.
class CardGenerator {
public:
    explicit CardGenerator(const Options& options);
    TAnketa next();

private:
    QString pick(const QStringList& list);
    Options m_options;
    std::mt19937 m_random;
    qint64 m_index = 0;
    int m_year = 0;
    int m_number = 0;
};

// Writes a main card file of generated cards.
void writeCardFile(const QString& path, const Options& options);

// A whole installation folder: the folder tree, the built-in files and a main card file.
void makeInstallation(const QString& root, const Options& options);

} // namespace zelmar::gen
