#include "CExportJob.h"

#include "CExportModule.h"
#include "CExportSequence.h"
#include "run/CRunDriver.h"

CExportJob::CExportJob(const CTrevalinDoc& doc, const CExportSettings& settings)
    : CExportJob(CExportSequence(doc, settings.morph, settings.steps), settings)
{
}

CExportJob::CExportJob(const CExportSequence& morphs, const CExportSettings& settings) : m_settings(settings)
{
    if (CExportTask::MakeFunction make = CExportModule::Load(m_loadError)) {
        m_pTask.reset(make(morphs, settings));
    }
}

CExportJob::~CExportJob() = default;

CMessage CExportJob::NothingToWriteText()
{
    return CMessage(CRunDriver::kIncompatibleText);
}

CMessage CExportJob::Check() const
{
    return m_pTask ? m_pTask->Check() : m_loadError;
}

void CExportJob::SetRowPool(CRowPool* pPool)
{
    if (m_pTask) m_pTask->SetRowPool(pPool);
}

CExportSummary CExportJob::Run(CCancelToken::Ticket cancel, const Progress& progress)
{
    if (m_pTask) {
        return m_pTask->Run(cancel, progress);
    }
    CExportSummary summary;
    summary.outcome = CExportSummary::Outcome::kFailed;
    summary.error = m_loadError;
    return summary;
}

int64_t CExportJob::TotalSteps() const
{
    return m_pTask ? m_pTask->TotalSteps() : 0;
}

int32_t CExportJob::OutputWidth() const
{
    return m_pTask ? m_pTask->OutputWidth() : 0;
}

int32_t CExportJob::OutputHeight() const
{
    return m_pTask ? m_pTask->OutputHeight() : 0;
}
