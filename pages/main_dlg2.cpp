#include "pages/main_dlg2.h"

#include <cmath>
#include <ctime>

#include "platform/crt_random.h"

namespace {
// A velocity component from a draw: 0 to one unit a second, 1/40 a tick.
constexpr double kVelocityScale = CRT_RAND_MAX * kTicksPerSecond;  // 1310680
constexpr double kBounceKeep = 0.9;    // share of speed kept along a wall's axis
constexpr double kBounceDamp = 0.999;  // rotation factor from the first bounce of a tick on

double RandomUnit() {
    return CrtRand() / static_cast<double>(CRT_RAND_MAX);
}
}  // namespace

bool CMainDlg2::OnCommand(WORD id) {
    switch (id) {
        case IDC_START:
            OnStart();
            break;
        case IDC_EYE_LEFT:
            TurnEye(m_turnStep);
            break;
        case IDC_EYE_RIGHT:
            TurnEye(-m_turnStep);
            break;
        case IDC_EYE_X_MINUS:
            m_eye.x -= m_eyeStep;
            break;
        case IDC_EYE_X_PLUS:
            m_eye.x += m_eyeStep;
            break;
        case IDC_EYE_Y_MINUS:
            m_eye.y -= m_eyeStep;
            break;
        case IDC_EYE_Y_PLUS:
            m_eye.y += m_eyeStep;
            break;
        case IDC_EYE_Z_MINUS:
            m_eye.z -= m_eyeStep;
            break;
        case IDC_EYE_Z_PLUS:
            m_eye.z += m_eyeStep;
            break;
        default:
            return false;
    }
    return true;
}

void CMainDlg2::InitControls() {
    InitCommonControls(L"視点座標", L"注視点座標", [] {});
}

// The grid, then the cubes and the stars, all drawn on a screen of the
// view's size; all but the grid move.
void CMainDlg2::ListModels(const CGridTmpl<double>& screen) {
    m_drawnCount = 0;
    m_drawn[m_drawnCount++] = &m_line;
    for (CCube& cube : m_cube) {
        m_drawn[m_drawnCount++] = &cube;
    }
    for (CStar& star : m_star) {
        m_drawn[m_drawnCount++] = &star;
    }
    for (int i = 0; i < m_drawnCount; ++i) {
        m_drawn[i]->m_screenSize.x = screen.x;
        m_drawn[i]->m_screenSize.y = screen.y;
    }
    m_animatedCount = 0;
    for (int i = 1; i < m_drawnCount; ++i) {
        m_animated[m_animatedCount++] = m_drawn[i];
    }
}

void CMainDlg2::SetupScene() {
    const CGridTmpl<double> screen = ViewSize();
    m_turnStep = 5 * kDegree;
    m_eyeStep = 0.1;
    // The only seeding in the program; page one's "Random" draws from the same sequence.
    CrtSrand(static_cast<unsigned int>(std::time(nullptr)));

    ListModels(screen);

    m_eye = CGridTmpl<double>(0.5, 0.5, -0.6);
    m_lookAt = CGridTmpl<double>(0.5, 0.4, 0.5);

    // Cubes first, then stars, each placed at three fresh draws (x first).
    CModelParam cubeParam{};
    cubeParam.sizeX[0] = 0.05;
    cubeParam.sizeY[0] = 0.05;
    cubeParam.sizeZ[0] = 0.05;
    CModelParam starParam{};
    starParam.radius = 0.05;
    starParam.depth = 0.025;
    for (int i = 0; i < m_animatedCount; ++i) {
        const double x = RandomUnit();
        const double y = RandomUnit();
        const double z = RandomUnit();
        PlaceModel(*m_animated[i], i < 5 ? cubeParam : starParam, CGridTmpl<double>(x, y, z),
                   m_lookAt, m_eye);
    }

    CModelParam lineParam{};
    lineParam.sizeX[0] = 0.1;
    lineParam.sizeZ[0] = 0.1;
    lineParam.count = 320;
    PlaceModel(m_line, lineParam, CGridTmpl<double>(0.0, 0.0, 0.0), m_lookAt, m_eye);
}

void CMainDlg2::OnStart() {
    // All rates first, then all velocities, each x, y, z in turn.
    for (int i = 0; i < m_animatedCount; ++i) {
        const double x = RandomUnit() * 24.0 * kDegree;
        const double y = RandomUnit() * 24.0 * kDegree;
        const double z = RandomUnit() * 24.0 * kDegree;
        m_modelRate[i] = CGridTmpl<double>(x, y, z);
    }
    for (int i = 0; i < m_animatedCount; ++i) {
        const double x = CrtRand() / kVelocityScale;
        const double y = CrtRand() / kVelocityScale;
        const double z = CrtRand() / kVelocityScale;
        m_velocity[i] = CGridTmpl<double>(x, y, z);
    }
}

void CMainDlg2::TurnEye(double angle) {
    const double dx = m_eye.x - m_lookAt.x;
    const double dz = m_eye.z - m_lookAt.z;
    const double s = std::sin(angle);
    const double c = std::cos(angle);
    m_eye.x = m_lookAt.x + c * dx + s * dz;
    m_eye.z = m_lookAt.z + c * dz - s * dx;
}

LRESULT CMainDlg2::OnTimer() {
    double factor = 1.0;
    for (int i = 0; i < m_animatedCount; ++i) {
        CModelBase& model = *m_animated[i];
        if (model.MoveAndBounce(m_velocity[i], kBounceKeep) > 0) {
            factor = kBounceDamp;
        }
        model.Rotate(m_modelRate[i].x, m_modelRate[i].y, m_modelRate[i].z, factor);
    }
    RedrawScene();
    return 0;
}

void CMainDlg2::RedrawScene() {
    RedrawModels(m_drawn, m_drawnCount, m_lookAt, m_eye);
    UpdateStatusIfShown();
    RequestRepaint();
}

void CMainDlg2::UpdateStatus() {
    CScenePage::UpdateStatus(m_eye, m_lookAt, m_rotRate);
}
