#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "config/settings.h"
#include "ui/qsettings_store.h"

using namespace trimora;

class TestQSettingsStore : public QObject {
    Q_OBJECT
private:
    QTemporaryDir configHome_;

private slots:
    // The default file must never land in the real user's configuration folder.
    void initTestCase() {
        QVERIFY(configHome_.isValid());
        qputenv("XDG_CONFIG_HOME", configHome_.path().toUtf8());
    }

    void kindsRoundTripThroughTheFile() {
        QTemporaryDir dir;
        const QString file = dir.filePath("t.ini");
        {
            QSettingsStore store(file);
            QVERIFY(store.WriteString("CompanyName",
                                      "Velmar, \xC5\xA0"
                                      "abac \"d.o.o.\""));
            QVERIFY(store.WriteString("wbtable", " "));
            QVERIFY(store.WriteInteger("Testera", -40000));
            QVERIFY(store.WriteBool("Zvuk", false));
            QVERIFY(store.WriteDouble("CENA1", 0.1));
            QVERIFY(store.WriteDouble("CENA2", 12.5));
            QVERIFY(store.Sync());
        }
        QSettingsStore store(file);
        QVERIFY(store.ValueExists("Testera"));
        QVERIFY(!store.ValueExists("Visak"));
        QCOMPARE(store.ReadString("CompanyName").value(), std::string("Velmar, \xC5\xA0"
                                                                      "abac \"d.o.o.\""));
        QCOMPARE(store.ReadString("wbtable").value(), std::string(" "));
        QCOMPARE(store.ReadInteger("Testera").value(), -40000);
        QCOMPARE(store.ReadBool("Zvuk").value(), false);
        QCOMPARE(store.ReadDouble("CENA1").value(), 0.1);
        QCOMPARE(store.ReadDouble("CENA2").value(), 12.5);
        QVERIFY(!store.ReadInteger("Visak").has_value());

        // Stored as plain numbers under the version group.
        QFile raw(file);
        QVERIFY(raw.open(QIODevice::ReadOnly));
        const QByteArray text = raw.readAll();
        QVERIFY(text.contains("[Trimora_1.3]"));
        QVERIFY(text.contains("CENA2=12.5"));
        QVERIFY(text.contains("Testera=-40000"));
    }

    void wrongKindReadsAsMissing() {
        QTemporaryDir dir;
        const QString file = dir.filePath("t.ini");
        QFile raw(file);
        QVERIFY(raw.open(QIODevice::WriteOnly));
        raw.write("[Trimora_1.3]\nJedMere=abc\nCENA1=12,5\nTestera=4.5\nZvuk=\nAreaStyle=3\n");
        raw.close();
        QSettingsStore store(file);
        QVERIFY(store.ValueExists("JedMere"));
        QVERIFY(!store.ReadInteger("JedMere").has_value());
        QCOMPARE(store.ReadString("JedMere").value(), std::string("abc"));
        QVERIFY(!store.ReadDouble("CENA1").has_value());
        QVERIFY(!store.ReadInteger("Testera").has_value());
        QVERIFY(!store.ReadBool("Zvuk").has_value());
        QCOMPARE(store.ReadInteger("AreaStyle").value(), 3);

        // The settings fall back to their defaults for the damaged values only.
        const LoadedSettings loaded = LoadSettings(store, "/opt/trimora", "en_US");
        QCOMPARE(loaded.settings.JedMere, 1);
        QCOMPARE(loaded.settings.CENA1, 0.0f);
        QCOMPARE(loaded.settings.Testera, uint16_t{4});
        QCOMPARE(loaded.settings.Zvuk, true);
        QCOMPARE(loaded.settings.AreaStyle, 3);
    }

    void defaultFileLivesInTheUserConfigFolder() {
        QSettingsStore store;
        const QString config =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        QCOMPARE(config, configHome_.path());
        QCOMPARE(store.FileName(), config + "/VELMAR/Trimora.ini");
        const LoadedSettings loaded = LoadSettings(store, "/opt/trimora", "sr_RS");
        QCOMPARE(loaded.language, std::string("Srpski"));
        QVERIFY(store.Sync());
        QSettingsStore again;
        QCOMPARE(again.ReadString("iLang").value(), std::string("Finished"));
        QCOMPARE(again.ReadInteger("DefSheetWidth").value(), 270);
    }
};

QTEST_GUILESS_MAIN(TestQSettingsStore)
#include "test_qsettings_store.moc"
