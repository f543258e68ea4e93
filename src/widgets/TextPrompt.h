#pragma once
// The one-line input prompt: caption, prompt, up to 255 characters of the game's code page,
// OK (default) and Cancel.

#include <QDialog>

class QLineEdit;

class TextPrompt : public QDialog {
    Q_OBJECT
public:
    TextPrompt(const QString& caption, const QString& prompt, QWidget* parent = nullptr);
    QString text() const;

private:
    QLineEdit* edit_;
};
