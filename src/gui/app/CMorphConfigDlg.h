#pragma once

#include <QWidget>
#include <cstdint>

class CUserPrompts;
class QComboBox;
class QLineEdit;
class QPushButton;

// The control bar: the number of intermediate steps (1 to 100), the speed
// list 快 / 中 / 慢, and Start, Pause and Stop. Start validates the steps
// and tells the frame; Pause and Stop tell it without reading anything.
class CMorphConfigDlg : public QWidget {
    Q_OBJECT

public:
    explicit CMorphConfigDlg(CUserPrompts& prompts, QWidget* parent = nullptr);

    // Reads the steps field into m_nSteps and checks its range. On failure
    // shows the message, puts the focus back into the field and returns
    // false.
    bool DoDataExchange();
    // Timer interval of the chosen speed: 50, 100 or 250 ms; 100 with no
    // choice.
    int32_t GetInterval() const;
    // The count the steps field holds now if it is valid, else 0; shows
    // no message.
    int32_t PeekSteps() const;

    void OnStart();
    void OnPause();
    void OnStop();

    QLineEdit* StepsEdit() const { return m_pSteps; }
    QComboBox* SpeedList() const { return m_pSpeed; }

    int32_t m_nSteps = 10;

signals:
    void morphStart();
    // The steps field holds a valid count (1 to 100) after an edit. The
    // run still reads the field only at Start.
    void stepsEdited(int n);
    // After every edit of the steps field: whether it holds a valid count.
    void stepsValidityChanged(bool valid);
    void morphPause();
    void morphStop();

private:
    CUserPrompts& m_prompts;
    QLineEdit* m_pSteps;
    QComboBox* m_pSpeed;
};
