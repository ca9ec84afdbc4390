#pragma once
// The folder that holds the register's files, and the names of those files in it. Which folder
// that is (the command line, beside the executable, the trainee's own) data_location decides.

#include <QString>

namespace tarvel {

inline const QString kHeaderFileName = QStringLiteral("clishe.txt");
inline const QString kJournalFileName = QStringLiteral("bazasmen.txt");
inline const QString kGoodsFileName = QStringLiteral("spravoch.txt");

class DataDir {
  public:
    explicit DataDir(QString directory) : dir_(std::move(directory)) {}
    const QString& path() const { return dir_; }
    QString filePath(const QString& fileName) const { return dir_ + QLatin1Char('/') + fileName; }

  private:
    QString dir_;
};

} // namespace tarvel
