#pragma once
// QAbstractItemModelTester on a model for as long as the model lives; its
// findings fail the running Qt test.
#include <QAbstractItemModel>
#include <QAbstractItemModelTester>

namespace veltrix::test {

inline QAbstractItemModelTester* AttachModelTester(QAbstractItemModel* model) {
    return new QAbstractItemModelTester(model, QAbstractItemModelTester::FailureReportingMode::QtTest, model);
}

}  // namespace veltrix::test
