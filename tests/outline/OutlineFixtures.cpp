#include "OutlineFixtures.h"

namespace fixtures {

MySelectorItem* addAnalysis(MySelectorRootItem& root, const QString& title, const QList<DataColumn>& data,
                            const QList<CategoryColumn>& categorizing, bool editting)
{
    auto* analysis = root.append(std::make_unique<MySelectorItem>(title, &root));
    analysis->append(std::make_unique<MySelectorItem>("graphType", "scatter", QString(),
                                                      std::vector<std::unique_ptr<MySelectorItem>>{}, QVector<qint64>{},
                                                      QVector<std::optional<double>>{}, analysis));
    auto* dataGroup = analysis->append(std::make_unique<MySelectorItem>("DataColumns", analysis));
    auto* catGroup = analysis->append(std::make_unique<MySelectorItem>("Categorizing", analysis));
    for (const DataColumn& d : data) {
        auto* column = dataGroup->append(std::make_unique<MySelectorItem>(d.title, dataGroup));
        column->append(std::make_unique<MySelectorItem>(d.title, d.title, "YES", std::vector<std::unique_ptr<MySelectorItem>>{},
                                                        QVector<qint64>{}, d.values, column));
    }
    for (const CategoryColumn& c : categorizing) {
        auto* column = catGroup->append(std::make_unique<MySelectorItem>(c.title, catGroup));
        for (int i = 0; i < c.categories.size(); ++i) {
            const bool used = i >= c.used.size() || c.used[i];
            column->append(std::make_unique<MySelectorItem>(c.categories[i], c.categories[i], used ? "YES" : "NO",
                                                            std::vector<std::unique_ptr<MySelectorItem>>{},
                                                            QVector<qint64>{qint64(i)}, QVector<std::optional<double>>{}, column));
        }
    }
    analysis->changeEditting(editting);
    return analysis;
}

} // namespace fixtures
