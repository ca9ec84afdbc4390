#pragma once
// Where the register keeps its files: the directory that holds the executable.

#include <QString>

namespace tarvel {

inline const QString kHeaderFileName = QStringLiteral("clishe.txt");
inline const QString kJournalFileName = QStringLiteral("bazasmen.txt");
inline const QString kGoodsFileName = QStringLiteral("spravoch.txt");

class DataDir {
  public:
    explicit DataDir(QString directory) : dir_(std::move(directory)) {}
    // The directory of the running executable (needs a QCoreApplication).
    static DataDir besideExecutable();

    const QString& path() const { return dir_; }
    QString filePath(const QString& fileName) const { return dir_ + QLatin1Char('/') + fileName; }

  private:
    QString dir_;
};

} // namespace tarvel
